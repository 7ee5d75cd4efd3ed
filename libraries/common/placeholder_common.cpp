// placeholder: the shared numerics follow
