IF if $x ^ #a @b `c\d
€ ×
