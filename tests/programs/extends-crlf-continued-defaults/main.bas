' A file with CR LF line ends whose parent declares and implements members
' over lines continued with " _", with defaults and comments after the
' continuation. The extending type keeps every default.

type Logger
	prefix as string
  declare sub log_(byref msg as string = "none", _ ' the text
                   byval level as integer = 1, _
                   byval stamp as boolean = false)
  declare function fmt(byval a as integer, _
                       byval b as integer = 2) as string
end type
sub Logger.log_(byref msg as string, _ ' the text
                byval level as integer, _
                byval stamp as boolean)
  print prefix; msg; level; stamp
end sub
function Logger.fmt(byval a as integer, _
                    byval b as integer) as string
  return a & "/" & b
end function
type FileLogger extends Logger
  path as string
end type
dim f as FileLogger
f.prefix = "> "
f.log_()
f.log_("hi")
f.log_("hey", 3, true)
print f.fmt(1); " "; f.fmt(1, 5)
