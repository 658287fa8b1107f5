echo <<<EOT
a $b 'c'
  EOT; is closed here
$x = <<<END_1
xEND_1; closes inside a longer word
$y = <<<A
still A ; A;
