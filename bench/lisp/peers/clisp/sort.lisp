; Sorts 100,000 pseudo-random numbers; the least, the middle and the
; greatest are the result.
(defun gen (n)
  (let ((l nil) (x 1))
    (dotimes (i n l)
      (setq x (rem (+ (* x 75) 74) 65537))
      (setq l (cons x l)))))
(defun run ()
  (let ((s (sort (gen 100000) #'<)))
    (list (car s) (nth 50000 s) (car (last s)))))
(print (run))
