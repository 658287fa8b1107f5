NaN null Null undefined Undefined E e PI pi
onLoad onload ONLOAD onMouseOver getElementById MAX_VALUE SQRT1_2 LN10
instanceof synchronized thisIsAVeryLongIdentifierWhoseHashIsFarAbove253 _ __ _x1
