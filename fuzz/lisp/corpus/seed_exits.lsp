; Non-local exits crossing UNWIND-PROTECT
(unwind-protect 1 (print 'cleanup))
(block b (unwind-protect (return-from b 'left) (print 'cleanup-return-from)))
(dolist (x '(1 2)) (unwind-protect (return 'out) (print 'cleanup-return)))
(tagbody (unwind-protect (go end) (print 'cleanup-go)) (print 'skipped) end)
(catch 'c (unwind-protect (throw 'c 'thrown) (print 'cleanup-throw)))
(errset (unwind-protect (car 1) (print 'cleanup-error)))
(errset (unwind-protect (error "custom" 5) (print 'cleanup-error2)) nil)
(unwind-protect (car 2) (print 'cleanup-toplevel))
; Nested clean-ups run innermost first
(catch 'c (unwind-protect (unwind-protect (throw 'c 1) (print 'inner)) (print 'outer)))
; A clean-up that exits itself replaces the first exit
(catch 'a (catch 'b (unwind-protect (throw 'a 1) (throw 'b 2))))
; GO, RETURN and THROW without targets
(go nowhere)
(return 1)
(return-from nowhere 1)
(throw 'nobody 1)
(block nil (return))
(block outer (block inner (return-from outer 'o)) 'not-here)
(catch 'x 1 2 3)
(catch 'x (throw 'x))
(tagbody (setq i 0) top (setq i (1+ i)) (if (< i 3) (go top)))
i
(prog ((n 0)) loop (setq n (1+ n)) (if (< n 5) (go loop)) (return n))
(prog* ((a 1) (b (+ a 1))) (return (list a b)))
(prog () 1)
; Errors inside functions unwind their bindings
(defun deep (n) (if (= n 0) (car 'x) (deep (1- n))))
(setq y 'global)
(defun uses-y (y) (deep 3))
(uses-y 'local)
y
(error "plain message")
(error "with value" '(1 2))
(error 5)
