// Links one core layer whole with only the layers it may depend on; the program
// never runs: linking it is the check.
int main() { return 0; }
