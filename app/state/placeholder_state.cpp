// placeholder: this folder's code follows
