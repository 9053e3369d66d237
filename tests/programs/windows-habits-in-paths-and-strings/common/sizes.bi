const LIST_CAP = 4
