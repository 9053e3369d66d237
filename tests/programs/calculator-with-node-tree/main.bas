' A small calculator: a lexer turns each line into tokens, the shunting-yard
' algorithm orders them with a stack of tokens, and the postfix form is both
' evaluated on a stack of doubles and built into a tree of nodes that
' evaluates itself recursively. Both results must agree.

enum TokKind
  TK_END
  TK_NUM
  TK_NAME
  TK_OP
  TK_LPAR
  TK_RPAR
  TK_ASSIGN
  TK_FUNC
  TK_BAD
end enum

type Token
  kind as TokKind
  text as string
  num as double
end type

template Stack
  items(any) as t1
  size as integer
  declare sub push(byref v as t1)
  declare function pop() as t1
  declare function peek() byref as t1
  declare function isEmpty() as boolean
end template

sub Stack.push(byref v as t1)
  if size > ubound(items) then redim preserve items(size * 2 + 3)
  items(size) = v
  size += 1
end sub

function Stack.pop() as t1
  size -= 1
  return items(size)
end function

function Stack.peek() byref as t1
  return items(size - 1)
end function

function Stack.isEmpty() as boolean
  return size = 0
end function

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
end template

sub List.add(byref v as t1)
  if count > ubound(items) then redim preserve items(count * 2 + 3)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

type Lexer
  src as string
  pos as integer
  declare constructor(byref s as string)
  declare function nextToken() as Token
end type

constructor Lexer(byref s as string)
  src = s
end constructor

function Lexer.nextToken() as Token
  dim t as Token
  while pos < len(src) andalso src[pos] = asc(" ")
    pos += 1
  wend
  if pos >= len(src) then
    t.kind = TK_END
    return t
  end if
  dim start as integer = pos
  select case as const src[pos]
  case asc("0") to asc("9"), asc(".")
    while pos < len(src) andalso (instr("0123456789.", chr(src[pos])) > 0)
      pos += 1
    wend
    t.kind = TK_NUM
    t.text = mid(src, start + 1, pos - start)
    t.num = val(t.text)
  case asc("a") to asc("z"), asc("A") to asc("Z")
    while pos < len(src) andalso (instr("abcdefghijklmnopqrstuvwxyz0123456789", lcase(chr(src[pos]))) > 0)
      pos += 1
    wend
    t.text = lcase(mid(src, start + 1, pos - start))
    t.kind = iif(pos < len(src) andalso src[pos] = asc("("), TK_FUNC, TK_NAME)
  case asc("+"), asc("-"), asc("*"), asc("/"), asc("^")
    t.kind = TK_OP
    t.text = chr(src[pos])
    pos += 1
  case asc("(")
    t.kind = TK_LPAR
    t.text = "("
    pos += 1
  case asc(")")
    t.kind = TK_RPAR
    t.text = ")"
    pos += 1
  case asc("=")
    t.kind = TK_ASSIGN
    t.text = "="
    pos += 1
  case else
    t.kind = TK_BAD
    t.text = chr(src[pos])
    pos += 1
  end select
  return t
end function

function precOf(byref op as string) as integer
  select case op
  case "+", "-"
    return 1
  case "*", "/"
    return 2
  case "neg"
    return 3
  case "^"
    return 4
  end select
  return 0
end function

' Orders the tokens of an expression into postfix form; returns false on a
' token that cannot stand where it is.
function toPostfix(byref lx as Lexer, byref outq as List<<<Token>>>, byref errText as string) as boolean
  dim ops as Stack<<<Token>>>
  dim prevWasValue as boolean = false
  do
    dim t as Token = lx.nextToken()
    select case t.kind
    case TK_END
      exit do
    case TK_NUM, TK_NAME
      outq.add(t)
      prevWasValue = true
    case TK_FUNC
      ops.push(t)
    case TK_LPAR
      ops.push(t)
      prevWasValue = false
    case TK_RPAR
      while ops.isEmpty() = false andalso ops.peek().kind <> TK_LPAR
        outq.add(ops.pop())
      wend
      if ops.isEmpty() then
        errText = "unbalanced )"
        return false
      end if
      ops.pop()
      if ops.isEmpty() = false andalso ops.peek().kind = TK_FUNC then outq.add(ops.pop())
      prevWasValue = true
    case TK_OP
      if prevWasValue = false then
        if t.text <> "-" then
          errText = "operator " & t.text & " without a left operand"
          return false
        end if
        t.text = "neg"
        ops.push(t)
      else
        dim rightAssoc as boolean = (t.text = "^")
        while ops.isEmpty() = false andalso ops.peek().kind = TK_OP
          dim p as integer = precOf(ops.peek().text)
          if p > precOf(t.text) orelse (p = precOf(t.text) andalso rightAssoc = false) then
            outq.add(ops.pop())
          else
            exit while
          end if
        wend
        ops.push(t)
        prevWasValue = false
      end if
    case else
      errText = "unexpected '" & t.text & "'"
      return false
    end select
  loop
  while ops.isEmpty() = false
    if ops.peek().kind = TK_LPAR then
      errText = "unbalanced ("
      return false
    end if
    outq.add(ops.pop())
  wend
  return true
end function

type Bindings
  names as List<<<string>>>
  values as List<<<double>>>
  declare function find(byref n as string) as integer
  declare sub assign(byref n as string, byval v as double)
end type

function Bindings.find(byref n as string) as integer
  for i as integer = 0 to names.count - 1
    if names.at(i) = n then return i
  next
  return -1
end function

sub Bindings.assign(byref n as string, byval v as double)
  dim i as integer = find(n)
  if i < 0 then
    names.add(n)
    values.add(v)
  else
    values.items(i) = v
  end if
end sub

function applyOp(byref op as string, byval a as double, byval b as double) as double
  select case op
  case "+" : return a + b
  case "-" : return a - b
  case "*" : return a * b
  case "/" : return a / b
  case "^" : return a ^ b
  case "neg" : return -a
  case "sqrt" : return sqr(a)
  case "abs" : return abs(a)
  case "half" : return a / 2
  end select
  return 0
end function

function evalPostfix(byref q as List<<<Token>>>, byref env as Bindings) as double
  dim st as Stack<<<double>>>
  for i as integer = 0 to q.count - 1
    dim byref t as Token = q.at(i)
    select case t.kind
    case TK_NUM
      st.push(t.num)
    case TK_NAME
      dim k as integer = env.find(t.text)
      st.push(iif(k < 0, 0.0, env.values.at(k)))
    case TK_FUNC
      st.push(applyOp(t.text, st.pop(), 0))
    case TK_OP
      if t.text = "neg" then
        st.push(-st.pop())
      else
        dim b as double = st.pop()
        dim a as double = st.pop()
        st.push(applyOp(t.text, a, b))
      end if
    end select
  next
  return st.pop()
end function

enum NodeKind
  NK_NUM
  NK_VAR
  NK_OP
  NK_CALL
  NK_STMT
end enum

dim shared liveNodes as integer

type NodeBase
  kind as NodeKind
  text as string
  declare function kindName() as string
end type

function NodeBase.kindName() as string
  select case kind
  case NK_NUM : return "number"
  case NK_VAR : return "variable"
  case NK_OP : return "operator"
  case NK_CALL : return "call"
  case else : return "statement"
  end select
end function

type Node extends NodeBase
  value as double
  children as List<<<Node ptr>>>
  declare constructor()
  declare destructor()
  declare function eval(byref env as Bindings) as double
  declare function show() as string
  declare function depth() as integer
end type

constructor Node()
  liveNodes += 1
end constructor

destructor Node()
  for i as integer = 0 to children.count - 1
    delete children.at(i)
  next
  liveNodes -= 1
end destructor

function Node.eval(byref env as Bindings) as double
  select case kind
  case NK_NUM
    return value
  case NK_VAR
    dim k as integer = env.find(text)
    return iif(k < 0, 0.0, env.values.at(k))
  case NK_CALL
    return applyOp(text, children.at(0)->eval(env), 0)
  case else
    dim a as double = children.at(0)->eval(env)
    if children.count = 1 then return applyOp(text, a, 0)
    return applyOp(text, a, children.at(1)->eval(env))
  end select
end function

function Node.show() as string
  select case kind
  case NK_NUM, NK_VAR
    return text
  case else
    dim s as string = "(" & text
    for i as integer = 0 to children.count - 1
      s &= " " & children.at(i)->show()
    next
    return s & ")"
  end select
end function

function Node.depth() as integer
  dim d as integer = 0
  for i as integer = 0 to children.count - 1
    dim c as integer = children.at(i)->depth()
    if c > d then d = c
  next
  return d + 1
end function

function buildTree(byref q as List<<<Token>>>) as Node ptr
  dim st as Stack<<<Node ptr>>>
  for i as integer = 0 to q.count - 1
    dim byref t as Token = q.at(i)
    dim n as Node ptr = new Node
    n->text = t.text
    select case t.kind
    case TK_NUM
      n->kind = NK_NUM
      n->value = t.num
    case TK_NAME
      n->kind = NK_VAR
    case TK_FUNC
      n->kind = NK_CALL
      n->children.add(st.pop())
    case else
      n->kind = NK_OP
      if t.text = "neg" then
        n->children.add(st.pop())
      else
        dim r as Node ptr = st.pop()
        n->children.add(st.pop())
        n->children.add(r)
      end if
    end select
    st.push(n)
  next
  return st.pop()
end function

' A statement is a node whose only child is the expression; it may name a
' variable that receives the value.
type Statement extends Node
  target as string
  declare function run(byref env as Bindings) as double
end type

function Statement.run(byref env as Bindings) as double
  dim v as double = children.at(0)->eval(env)
  if len(target) then env.assign(target, v)
  return v
end function

function postfixText(byref q as List<<<Token>>>) as string
  dim s as string
  for i as integer = 0 to q.count - 1
    s &= iif(i > 0, " ", "") & q.at(i).text
  next
  return s
end function

dim env as Bindings
dim lines(...) as string = { _
  "x = 3 + 4 * 2", _
  "y = (x - 1) / 2", _
  "-2 ^ 2 + 2 ^ -1", _
  "2 ^ 3 ^ 2", _
  "z = sqrt(x * y + 1) - abs(-half(y))", _
  "x * (y + z", _
  "4 + * 2", _
  "x $ 2", _
  "total = x + y + z + unknown", _
  "x = x / 2 - -1" _
}

for i as integer = 0 to ubound(lines)
  dim lx as Lexer = Lexer(lines(i))
  dim target as string
  dim first as Token = lx.nextToken()
  dim second as Token = lx.nextToken()
  if first.kind = TK_NAME andalso second.kind = TK_ASSIGN then
    target = first.text
  else
    lx.pos = 0
  end if
  dim q as List<<<Token>>>
  dim errText as string
  print lines(i)
  if toPostfix(lx, q, errText) = false then
    print "  error: "; errText
    continue for
  end if
  dim byval_ as double = evalPostfix(q, env)
  scope
    dim st as Statement
    st.kind = NK_STMT
    st.text = "stmt"
    st.target = target
    st.children.add(buildTree(q))
    dim v as double = st.run(env)
    print "  postfix: "; postfixText(q)
    print "  tree:    "; st.children.at(0)->show(); "  depth"; st.depth(); "  "; st.kindName()
    print "  value:  "; v; iif(v = byval_, "  (agrees)", "  (DIFFERS)"); "  nodes live:"; liveNodes
  end scope
  print "  nodes after statement:"; liveNodes
next

print "variables:"
for i as integer = 0 to env.names.count - 1
  print "  "; env.names.at(i); " ="; env.values.at(i)
next
