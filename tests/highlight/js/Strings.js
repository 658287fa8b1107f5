s = 'it\'s' + "a\"b" + "C:\\" + 'x';
u = "open and unterminated
v = 'next line is code' + """x""" + '' + ""
w = "ends with a backslash\
z = 'inner "double" quotes' + "inner 'single'"
