use sigtrap;
use constant PI => 3; no integer; use vars qw($a);
