// codewords
