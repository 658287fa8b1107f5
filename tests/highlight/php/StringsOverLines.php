$a = 'single
\' still single

end';
$b = "double

\" still \\" . "\"";
$c = "$v
{$w}";
