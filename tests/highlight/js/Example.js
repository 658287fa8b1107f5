body.onLoad = printNumber; // c
