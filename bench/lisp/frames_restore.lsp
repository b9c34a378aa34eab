; Restores the databases that frames_save.lsp wrote into a fresh
; interpreter.
(alloc 1000000)
(restore)
(list (length (getchildren kb)) (length (getchildren (car (getchildren kb)))))
