$_ $0 $! $@ $$ $" $# $% $& $' $( $) $* $+ $- $. $/ $: $; $< $= $> $? $[ $\ $] $` $| $~ $,
$^A $^D $^F $^I $^L $^P $^T $^W $^X $^Y $^
$ARGV @ARGV %ARGV %INC @INC $INC $ENV $FORMAT_LINE_BREAK_CHARACTERS $password1 @list %hash Foo $_foo
