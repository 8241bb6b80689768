// reed_solomon
