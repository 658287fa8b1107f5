// every kind of token and both states
function show(form) {
	var n = 0x1F + 12.5 - 3;	/* inline */
	document.write("n is " + n + '\n');
	window.onLoad = show; $ @ #
	if (n >= 10 && !form.checked) { n *= 2; }
}
/* a comment
   over lines */ x++;
Имя = `b`;
