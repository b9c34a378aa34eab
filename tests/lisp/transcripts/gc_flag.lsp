; With *GC-FLAG* set a collection reports the total and free node counts
(setq *gc-flag* t)
(progn (gc) 'collected)
(setq *gc-flag* nil)
(gc)
