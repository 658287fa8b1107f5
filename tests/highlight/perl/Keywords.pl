print PRINT Print q qq qw qx m tr y sub my local our
and cmp eq ge gt le lt ne not or xor AND Eq
constant diagnostics integer less locale sigtrap strict subs vars Strict
