// qr_encoder
