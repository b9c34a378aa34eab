; Builds, maps, reverses and sorts lists of 100,000 elements; the
; collector runs many times on the way.  Segments of 65536 nodes: with
; the initial 1024 a collection frees little more than one segment's worth,
; and a heap of half a million live nodes is marked every thousand
; allocations.
(alloc 65536)
(defun build (n) (let ((l nil)) (dotimes (i n l) (setq l (cons (rnd 1000000) l)))))
(defun run ()
  (let* ((l (build 100000))
         (m (mapcar (lambda (x) (* x 2)) l))
         (r (reverse m))
         (s (sort r #'<)))
    (list (length s) (<= (car s) (cadr s)) (length (sort (build 100000) (lambda (a b) (> a b)))))))
(run)
(run)
