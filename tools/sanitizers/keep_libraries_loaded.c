/* Linked into every program of the address-sanitized build: libraries that a program loads at run
 * time (Mesa's driver behind libGL and EGL, the X11 extension libraries SDL opens) are never
 * unloaded. Unloaded, what they still held would read as leaked, with no library left to name it
 * by; loaded, LeakSanitizer sees their own references and the suppressions can name the rest. */
int dlclose(void *handle) {
    (void)handle;
    return 0;
}
