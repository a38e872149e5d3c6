// The code of the sample programs that hold the test resources; it is never run.
int main() { return 0; }
