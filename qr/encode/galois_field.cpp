// galois_field
