; Symbols and case folding
'foo
'Foo
'|foo|
(eq 'foo 'FOO)
'абв
(eq 'абв 'АБВ)
'/test
/test
(symbol-name 'a\bc)
; Numbers
1.
+7
-2.5
1E3
'1.2.3
'E5
(type-of 1.)
(type-of 1E3)
-0
+.5
'+
'-
'.5.
12345678901
#x1f
#X1F
#o17
#b101
'(#b102)
#x
; Dispatch forms
(subseq (format nil "~s" #'car) 0 12)
(eq #'car (function car))
#(1 (2 3) "x")
(symbol-name '#/uninterned)
(eq '#/abc 'abc)
#\a
#\Space
#\newline
#\SPACE
(char-code #\()
#| a block #| nested |# comment |# 42
; Strings and escapes
"a\tb"
"q\"q"
"\101\102"
(length "\n\r\f\t")
"\x"
; Lists and dotted pairs
'(a . b)
'(a b . c)
'(a . (b c))
'( a ; comment
   b )
(list 1 !(+ 1 2) 4)
; Token buffer of 100 characters
(length (symbol-name 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa))
; Reader errors
(a . b c)
( . a)
(a . )
)
#\unknown
#q
"\08"
(read (make-string-input-stream "(a b"))
(read (make-string-input-stream "\"abc"))
(read (make-string-input-stream "a\\"))
(read (make-string-input-stream "#\\"))
(read (make-string-input-stream (string (int-char 1))))
(read (make-string-input-stream "|ab"))
(read (make-string-input-stream "||"))
(read (make-string-input-stream "") 'eof)
(read (make-string-input-stream "; only a comment") 'eof)
(let ((s (make-string-input-stream "1 (2) three"))) (list (read s) (read s) (read s) (read s)))
(read (make-string-input-stream "\\"))
(read (make-string-input-stream "#("))
(read (make-string-input-stream "#"))
(read (make-string-input-stream "'"))
(read (make-string-input-stream "(a . b"))
(read (make-string-input-stream "(a . b c"))
(read (make-string-input-stream "^"))
(let ((s (make-string-input-stream "^ok"))) (list (errset (read s) nil) (read s)))
'a^b
; The letter я (byte 255) is text like any other
'(яблоко Я)
(char-int #\я)
