// Lets a folder library build while it holds headers only.
