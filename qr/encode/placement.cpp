// placement
