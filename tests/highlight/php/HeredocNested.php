$a = <<<ONE
ONE
ONE ;
ONE; $b = <<<TWO
TWO; $c = <<<ONE
text
ONE;
