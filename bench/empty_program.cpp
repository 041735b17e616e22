// The floor of the start-up's own cost: a program that does nothing, linked
// as the launcher is (statically, at a fixed address), so that what the
// launcher costs above it is the launcher's own work.
int main() { return 0; }
