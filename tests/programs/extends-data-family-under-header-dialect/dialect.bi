' The whole program is read in the fblite dialect.
#lang "fblite"
const TITLE = "points"
