a /* open
still */ x
/*/ still open

   */ y /**/ z
/** doc */ w /* */ /* last
