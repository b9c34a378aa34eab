; Builds lines with FORMAT into string output streams.
(defun run (n)
  (let ((total 0))
    (dotimes (i n total)
      (let ((s (make-string-output-stream)))
        (format s "item ~a of ~a: ~a~%" i n "text")
        (format s "~a~a~a" 'symbol 15 "tail")
        (setq total (+ total (length (get-output-stream-string s))))))))
(run 60000)
