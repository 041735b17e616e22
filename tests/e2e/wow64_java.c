/* A 64-bit Windows program standing in for a 64-bit JDK's bin\java.exe:
   it appends its width and its command line to args.txt beside it, then
   prints fake-jvm.txt from beside it, as a JVM running the verifier prints
   the magic line and the property values. Built by wow64.sh. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(void) {
  char directory[MAX_PATH];
  char path[MAX_PATH + 16];
  char buffer[4096];
  size_t count;
  FILE *file;
  char *slash;
  GetModuleFileNameA(NULL, directory, MAX_PATH);
  slash = strrchr(directory, '\\');
  if (slash) slash[1] = '\0';
  snprintf(path, sizeof path, "%sargs.txt", directory);
  file = fopen(path, "ab");
  if (!file) return 1;
  fprintf(file, "%d-bit %s\n", (int)(8 * sizeof(void *)), GetCommandLineA());
  fclose(file);
  snprintf(path, sizeof path, "%sfake-jvm.txt", directory);
  file = fopen(path, "rb");
  if (!file) return 1;
  while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) fwrite(buffer, 1, count, stdout);
  fclose(file);
  return 0;
}
