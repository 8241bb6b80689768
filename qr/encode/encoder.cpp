// encoder
