' A tree whose node names its own parent "parent", as trees do: a field
' parent, and a parameter parent. A Folder extends the node: its own member
' parent holds the node's part, the node's field is reached through it, and
' every other member works on the Folder as on the node.

Type TreeItem
  title As String
  parent As TreeItem Ptr
  Declare Sub attach(ByVal parent As TreeItem Ptr)
  Declare Function path() As String
  Declare Function depth() As Integer
End Type

Sub TreeItem.attach(ByVal parent As TreeItem Ptr)
  This.parent = parent
End Sub

Function TreeItem.path() As String
  If parent = 0 Then Return title
  Return parent->path() & "/" & title
End Function

Function TreeItem.depth() As Integer
  Dim d As Integer = 0
  Dim p As TreeItem Ptr = parent
  While p
    d += 1
    p = p->parent
  Wend
  Return d
End Function

Type Folder Extends TreeItem
  files As Integer
End Type

Dim root As TreeItem
root.title = "home"
Dim docs As TreeItem
docs.title = "docs"
docs.attach(@root)

Dim f As Folder
f.title = "letters"
f.files = 12
f.attach(@docs)
Print f.path(); f.depth(); f.files
Print f.parent.parent->title
