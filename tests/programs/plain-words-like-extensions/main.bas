' An ordinary FreeBASIC program whose words read like fbext's: a field named
' template, a variable assigned with "template =", comments and strings that
' say "extends" and "<<<". It must behave exactly as it does without fbext.

Type Letter
  template As String   ' the letter's text, with <<<name>>> to fill in
  extendsCount As Integer
End Type

Dim template As String
template = "Dear <<<name>>>,"
Dim l As Letter
l.template = template
l.extendsCount = 2
Print l.template; l.extendsCount
/' a type that extends nothing:
   type Foo extends Bar
   end type
'/
Print "type A extends B"; 1 Shl 3
