' A parent that declares enums and constants inside its block, public and
' private, and uses them in its fields and in its members' parameters and
' defaults. The types that extend it get every field and member, along a
' chain of three, and may override a member whose parameter has the
' parent's enum (extends-parent-names-in-child-members names them plainly).

Const DEFAULT_SPEED = 3

Enum Direction
  North, East, South, West
End Enum

Type Walker
  Enum WalkMode
    Idle = 0
    Moving
    Running
  End Enum
  Enum
    QUIET = 10, LOUD = 20
  End Enum
  Const STEP_SIZE = 2, MAX_SPEED = 9
  facing As Direction = East
  mode As WalkMode
  modes(0 To 2) As WalkMode
  speed As Integer = DEFAULT_SPEED
  volume As Integer = QUIET
  Declare Sub turn()
  Declare Sub setMode(ByVal m As WalkMode = Moving, ByVal v As Integer = LOUD)
  Declare Sub faster(ByVal by As Integer = STEP_SIZE)
  Declare Function describe() As String
  Declare Function modeRef() ByRef As WalkMode
Private:
  Enum Mood
    Calm = 1, Eager
  End Enum
  Const PATIENCE = 3
  feeling As Mood = Calm
Public:
  Declare Sub cheer(ByVal times As Integer = PATIENCE)
End Type

Sub Walker.cheer(ByVal times As Integer)
  feeling = Eager
  Print "cheer"; times; feeling
End Sub

Function Walker.modeRef() ByRef As WalkMode
  Return mode
End Function

Sub Walker.turn()
  facing = (facing + 1) Mod 4
End Sub

Sub Walker.setMode(ByVal m As WalkMode, ByVal v As Integer)
  modes(2) = modes(1) : modes(1) = modes(0) : modes(0) = mode
  mode = m
  volume = v
End Sub

Sub Walker.faster(ByVal by As Integer)
  speed += by
  If speed > MAX_SPEED Then speed = MAX_SPEED
End Sub

Function Walker.describe() As String
  Return "facing " & facing & ", mode " & mode & ", speed " & speed & ", volume " & volume
End Function

Type Runner Extends Walker
  Declare Constructor()
End Type

Constructor Runner()
  facing = North
  speed = DEFAULT_SPEED * 2
End Constructor

Type Sprinter Extends Runner
  Declare Function describe() As String
  ' Its own setMode, naming the parent's enum as it must from here.
  Declare Sub setMode(ByVal m As Walker.WalkMode = Walker.Idle, ByVal v As Integer = 0)
End Type

Function Sprinter.describe() As String
  Return "sprinter: " & parent.describe()
End Function

Sub Sprinter.setMode(ByVal m As Walker.WalkMode, ByVal v As Integer)
  Print "sprinter mode"; m
  parent.setMode(m, v + 1)
End Sub

Dim r As Runner
Print r.describe()
r.cheer()
r.cheer(1)
r.turn()
r.setMode()
r.faster()
Print r.describe()
r.mode = Walker.Running
Print r.mode = Walker.Running, r.modes(0), Walker.STEP_SIZE

Dim s As Sprinter
s.setMode(Walker.Running, Walker.QUIET)
s.faster(100)
s.turn() : s.turn()
Print s.describe()
s.modes(2) = Walker.Moving
Print s.modes(2), s.parent.parent.modes(2), s.volume
s.modeRef() = Walker.Idle
Print s.mode, s.modeRef() = Walker.Idle
