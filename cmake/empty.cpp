// empty.cpp — stands in for a library whose sources are not written yet.
