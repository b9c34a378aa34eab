; Node memory has a ceiling (VELLOQ_HEAP_LIMIT, see heap.env): growth
; stops there, and running out of nodes returns to the top level, where
; the program can still let go of what it holds.
(> (expand 100000000) 0)
(expand 10)
(setq big nil)
(loop (setq big (cons big big)))
(+ 1 2)
(make-array 100000000)
(setq big nil)
(progn (gc) 'collected)
(length (list 1 2 3))
