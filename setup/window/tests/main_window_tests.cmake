# The window object in the test process (filled in next).
