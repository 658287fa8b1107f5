IF Echo x1 = 0xFF + 1-2 + 1e5 + 12L + 3.14 + 1..2 + 0x1G;
