x = 1; // to the end ' " /*
y = 2;
//
