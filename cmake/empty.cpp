// Lets a library be declared before its folders add their sources.
