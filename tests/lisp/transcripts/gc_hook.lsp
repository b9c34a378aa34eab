; *GC-FLAG* makes a collection report itself; *GC-HOOK* gets the counts
(defun hook (total free) (setq seen (list (numberp total) (numberp free) (>= total free))))
(setq *gc-hook* 'hook)
(gc)
seen
(setq seen nil)
(progn (dotimes (i 3000) (cons i i)) (list seen))
(setq *gc-hook* nil)
; A string output stream held in a variable keeps its characters
(progn (setq s (make-string-output-stream)) (streamp s))
(princ "kept across " s)
(gc)
(princ 'collections s)
(dotimes (i 2000) (list i i i))
(get-output-stream-string s)
(get-output-stream-string s)
; An unreachable open file stream is closed by the collector
(progn (setq f (open "gcfile.txt" '/direction '/output)) (streamp f))
(princ "written before collection" f)
(setq f nil)
1
2
3
(gc)
(progn (setq r (open "gcfile.txt")) (streamp r))
(read-line r)
(close r)
(errset (close r) nil)
; A hook that fails does not leave the collector broken
(unwind-protect (progn (setq *gc-hook* 'car) (gc)) (setq *gc-hook* nil))
(gc)
