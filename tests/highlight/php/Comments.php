/* a
b */ $x
/*/ still

*/ # hash // slash
$y /**/ $z // rest /* not open
