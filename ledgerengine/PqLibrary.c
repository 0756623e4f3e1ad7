#include "ledgerengine/PqLibrary.h"

#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define PV14_PQ_FILE "libpq.dll"
#else
#include <dlfcn.h>
#define PV14_PQ_FILE "libpq.so.5"
#endif

static Pv14Pq table;
static int loaded; /* 0 not tried, 1 loaded, -1 failed */
static char failure[256];

static void* OpenLibrary(void) {
#ifdef _WIN32
  return (void*)LoadLibraryA(PV14_PQ_FILE);
#else
  /* Local: the library's symbols stay out of the program's namespace. */
  return dlopen(PV14_PQ_FILE, RTLD_NOW | RTLD_LOCAL);
#endif
}

static void* Find(void* library, const char* name) {
#ifdef _WIN32
  return (void*)GetProcAddress((HMODULE)library, name);
#else
  return dlsym(library, name);
#endif
}

/* Fills one slot; 0 when the library lacks the function. */
#define PV14_PQ_SLOT(slot, name)                                                                  \
  do {                                                                                            \
    void* found = Find(library, name);                                                            \
    if (found == NULL) {                                                                          \
      snprintf(failure, sizeof failure,                                                           \
               "the PostgreSQL client library " PV14_PQ_FILE " lacks %s; install a newer libpq5", \
               name);                                                                             \
      return 0;                                                                                   \
    }                                                                                             \
    memcpy(&table.slot, &found, sizeof found);                                                    \
  } while (0)

static int Load(void) {
  void* library = OpenLibrary();
  if (library == NULL) {
    snprintf(failure, sizeof failure,
             "a server store needs the PostgreSQL client library " PV14_PQ_FILE
             ", which is not installed; install the package libpq5");
    return 0;
  }
  PV14_PQ_SLOT(connectdbParams, "PQconnectdbParams");
  PV14_PQ_SLOT(status, "PQstatus");
  PV14_PQ_SLOT(errorMessage, "PQerrorMessage");
  PV14_PQ_SLOT(finish, "PQfinish");
  PV14_PQ_SLOT(db, "PQdb");
  PV14_PQ_SLOT(user, "PQuser");
  PV14_PQ_SLOT(host, "PQhost");
  PV14_PQ_SLOT(port, "PQport");
  PV14_PQ_SLOT(exec, "PQexec");
  PV14_PQ_SLOT(execParams, "PQexecParams");
  PV14_PQ_SLOT(resultStatus, "PQresultStatus");
  PV14_PQ_SLOT(resultErrorField, "PQresultErrorField");
  PV14_PQ_SLOT(resultErrorMessage, "PQresultErrorMessage");
  PV14_PQ_SLOT(clear, "PQclear");
  PV14_PQ_SLOT(ntuples, "PQntuples");
  PV14_PQ_SLOT(nfields, "PQnfields");
  PV14_PQ_SLOT(getvalue, "PQgetvalue");
  PV14_PQ_SLOT(getlength, "PQgetlength");
  PV14_PQ_SLOT(getisnull, "PQgetisnull");
  PV14_PQ_SLOT(putCopyData, "PQputCopyData");
  PV14_PQ_SLOT(putCopyEnd, "PQputCopyEnd");
  PV14_PQ_SLOT(getResult, "PQgetResult");
  PV14_PQ_SLOT(enterPipelineMode, "PQenterPipelineMode");
  PV14_PQ_SLOT(exitPipelineMode, "PQexitPipelineMode");
  PV14_PQ_SLOT(pipelineSync, "PQpipelineSync");
  PV14_PQ_SLOT(sendQueryParams, "PQsendQueryParams");
  PV14_PQ_SLOT(conninfoParse, "PQconninfoParse");
  PV14_PQ_SLOT(conninfoFree, "PQconninfoFree");
  PV14_PQ_SLOT(freemem, "PQfreemem");
  /* The library stays loaded for the process: its connections may outlive
   * any one user of this table. */
  return 1;
}

const Pv14Pq* pv14_pq_load(char* why, size_t whySize) {
  if (loaded == 0) loaded = Load() ? 1 : -1;
  if (loaded == 1) return &table;
  if (why != NULL && whySize > 0) snprintf(why, whySize, "%s", failure);
  return NULL;
}
