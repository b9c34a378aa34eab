(setq loaded 1)
(+ loaded 1)
