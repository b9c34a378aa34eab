(+ 1 2) (+ 3 4)

; a comment alone prints nothing
(list 1
      2
      3)
"a string with ( and ; inside"
(list "(" #\( '|(|)
(+ 10 20)
*
(+ 1 1)
**
+
++
(quote (a b))
+++
***
; Programs read the lines that follow their expression
(list (read) 'after)
(some data)
(read-line)
a line of text
(list (read) (read))  x y
(read-char)
z
; An error returns to the top level and the session goes on
(car 'x)
(+ 1 2)
; The remaining text of a line after the first expression is dropped
(print 'first) (print 'second)
(read-line)
