while ($_ ne "fred")    {
