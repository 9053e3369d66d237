#ifndef NAMES_BI
#define NAMES_BI
#include once "list.bi"

type Label
  text as string
end type

dim shared labels as List<<<Label>>>
#endif
rem names.bi ends here
REM
