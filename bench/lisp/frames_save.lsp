(save)
