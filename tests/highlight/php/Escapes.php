$a = "\\"; $b = 1;
$c = "\" still open;
$d = 2; "
