// Stands in for a test that needs the simulated modem when KZ_BUILD_SIM is off;
// CTest reports it as not run.
int main()
{
    return 0;
}
