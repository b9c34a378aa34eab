; Every printed node form (addresses are checked by their fixed prefix)
nil
'nil
'(a (b c) . d)
'(quote x)
"plain"
(prin1 "q\"q")
(prin1 (string (int-char 200)))
(princ (string (int-char 200)))
(prin1 "tab	and\\back")
(princ "tab	and\\back")
(prin1 (string (int-char 7)))
#\a
(princ #\a)
(prin1 #\Space)
(prin1 #\Newline)
#(a "s" #\c)
#()
(make-array 2)
1.5
-0.25
100.0
1e10
123
-17
(subseq (format nil "~s" #'car) 0 12)
(subseq (format nil "~s" #'if) 0 12)
(subseq (format nil "~s" (make-string-output-stream)) 0 18)
(subseq (format nil "~s" *standard-output*) 0 15)
(defun named (a &optional b) (list a b))
(subseq (format nil "~s" #'named) 0 17)
(let ((in (make-string-input-stream (format nil "~s" #'named))) (lines nil) (line nil))
  (read-line in)
  (while (setq line (read-line in)) (setq lines (cons line lines)))
  (reverse lines))
(subseq (format nil "~s" (lambda (x) x)) 0 12)
(type-of (lambda (x) x))
; Symbols with escapes
'|a b|
(prin1 '|a b|)
(princ '|a b|)
'|lower|
'|A\|B|
'|#HASH|
'\.dot
'|123|
'|1.5|
'|(paren|
'|with;semi|
'ABC
; *PRINT-CASE*
(setq *print-case* '/downcase)
(prin1 'abc)
(princ 'abc)
'(mixed list)
(setq *print-case* '/upcase)
'abc
; Number formats are checked before use
(setq *integer-format* "%5ld")
42
(setq *integer-format* "%lx")
255
(setq *integer-format* "%n")
42
(setq *integer-format* "%s")
42
(setq *integer-format* "%ld %ld")
42
(setq *integer-format* "%d")
42
(setq *integer-format* 'notastring)
42
(setq *integer-format* "<%ld>")
42
(setq *integer-format* "%ld")
(setq *float-format* "%.3f")
1.5
(setq *float-format* "%*g")
1.5
(setq *float-format* "%g")
1.5
; PRINT, PRIN1, PRINC, TERPRI return their values
(print 'x)
(progn (prin1 'y) (terpri))
(flatsize "ab")
(flatc "ab")
(flatsize '(a b))
(pprint '(defun long-function-name (first-argument second-argument) (let ((sum (+ first-argument second-argument))) (list sum sum sum))))
(pprint 'short)
