// masking
