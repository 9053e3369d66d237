' Keywords in capitals, a template used in another letter case, tabs.

TEMPLATE Counter
	count AS T1
	DECLARE SUB bump()
END TEMPLATE

SUB	Counter.bump()
	count += 1
END SUB

Template	Label
	text as t1
End	Template

Dim a As counter<<<Integer>>>
Dim b As COUNTER<<<integer>>>
a.bump() : a.bump() : b.bump()
Dim l As label<<<String>>>
l.text = "tabs"
Print a.count; b.count; " "; l.text
