print "The number is $number";
