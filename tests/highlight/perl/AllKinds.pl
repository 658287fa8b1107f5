#!/usr/bin/perl -w
use strict; # pragma and comment
my @list = (1, 0x1F, 3.14, 1_000);
while ($_ ne "fred")    {
	print STDERR 'single \' ends here' . "x";
}
$x = $ARGV[0] x 3 if defined $x and not $^W;
`ls` йто;
