// segmentation
