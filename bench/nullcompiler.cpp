// Stands in for the real compiler in the benchmark: it exits at once, so what
// is measured is the front end's own cost.
int main() {
    return 0;
}
