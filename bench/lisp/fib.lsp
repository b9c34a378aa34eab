; Doubly recursive Fibonacci: calls and fixnum arithmetic.
(defun fib (n) (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))
(fib 30)
