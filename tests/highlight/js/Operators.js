x += 1.0; i++ a--
a == b <= c != d === e
p -> q; r -= s; t %= u % v * w *= y
m & n && o &= p | q || r |= s
f(...args); a..b; c....d
x / y /= z; ~a ? b : c;
