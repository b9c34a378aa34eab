(setq loaded-before-error t)
(car 5)
(setq loaded-after-error t)
