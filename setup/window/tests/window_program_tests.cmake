# VeskSetup.exe driven from outside (filled in next).
