(+ 1 2)
"text"
