$a = "unterminated \" still ;
$b = 'next line is code';
$c = "\\" . "a\\\"b" . """x""" . '\\';
$d = 'no escapes \' . "";
