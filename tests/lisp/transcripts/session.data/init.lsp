; Loaded at start-up, before the first line is read.
(setq from-init '(loaded by init))
