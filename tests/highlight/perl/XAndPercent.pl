$s = "-" x
$s x= 3; $t = $u x 2; $v = 10 %
%= 2; %hash = (); % hash; xor x1 xx
