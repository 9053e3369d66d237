' x
