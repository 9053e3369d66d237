' lists.bi: a linked list whose nodes know the list they are in. Each of
' the two templates points at the other.
#pragma once

template Node
  value as t1
  nxt as Node<<<t1>>> ptr
  owner as List<<<t1>>> ptr
  declare function position() as integer
  declare sub detach()
end template

function Node.position() as integer
  dim n as Node<<<t1>>> ptr = owner->head
  dim i as integer
  while n <> @this
    i += 1
    n = n->nxt
  wend
  return i
end function

sub Node.detach()
  owner->remove(@this)
end sub

template List
  head as Node<<<t1>>> ptr
  count as integer
  declare sub push(byval v as t1)
  declare sub remove(byval n as Node<<<t1>>> ptr)
  declare function find(byval v as t1) as Node<<<t1>>> ptr
  declare destructor()
end template

sub List.push(byval v as t1)
  dim n as Node<<<t1>>> ptr = new Node<<<t1>>>
  n->value = v
  n->owner = @this
  if head = 0 then
    head = n
  else
    dim last as Node<<<t1>>> ptr = head
    while last->nxt : last = last->nxt : wend
    last->nxt = n
  end if
  count += 1
end sub

sub List.remove(byval n as Node<<<t1>>> ptr)
  if head = n then
    head = n->nxt
  else
    dim p as Node<<<t1>>> ptr = head
    while p->nxt <> n : p = p->nxt : wend
    p->nxt = n->nxt
  end if
  count -= 1
  delete n
end sub

function List.find(byval v as t1) as Node<<<t1>>> ptr
  dim n as Node<<<t1>>> ptr = head
  while n
    if n->value = v then return n
    n = n->nxt
  wend
  return 0
end function

destructor List()
  while head
    remove(head)
  wend
end destructor

type Scores as List<<<integer>>>
