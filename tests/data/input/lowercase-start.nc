g01 x10 y20
m30
