// Preloaded into the processes of the sanitizer run: libraries stay mapped
// until the process ends. The OpenGL driver is loaded and unloaded with the
// window, and the memory it keeps for the whole process would otherwise be
// reported as leaked from an unknown place, which no suppression can name.

extern "C" int dlclose(void*)
{
    return 0;
}
