' rpn.bas: evaluates expressions in reverse Polish notation with a stack.
'   fbc rpn.bas

#include once "containers.bi"

function evaluate(byref expression as string) as double
  dim operands as Stack<<<double>>>
  dim words as List<<<string>>>
  dim word as string

  ' Split the expression at spaces.
  for i as integer = 1 to len(expression) + 1
    dim c as string = mid(expression, i, 1)
    if c = " " or c = "" then
      if word <> "" then words.append(word)
      word = ""
    else
      word &= c
    end if
  next

  for i as integer = 0 to words.length - 1
    dim w as string = words.item(i)
    select case w
    case "+", "-", "*", "/"
      dim rhs as double = operands.pop()
      dim lhs as double = operands.pop()
      select case w
      case "+" : operands.push(lhs + rhs)
      case "-" : operands.push(lhs - rhs)
      case "*" : operands.push(lhs * rhs)
      case "/" : operands.push(lhs / rhs)
      end select
    case else
      operands.push(val(w))
    end select
  next
  return operands.pop()
end function

print "3 4 + 2 * = "; evaluate("3 4 + 2 *")
print "1 2 3 * + 4 / = "; evaluate("1 2 3 * + 4 /")
