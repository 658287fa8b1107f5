<?php
# every kind and state
function show($n) { // line comment
	$s = 'one
two' . "n=$n and {$a['k']}
";  /* open
close */ echo <<<EOT
text $x
EOT;
	return 0xFF + 12 * 1.5; \ ` é
}
?>
