/* Resource number of the application icon and the version shared by both
   executables. Read by the resource scripts and by C++ code alike, so it holds
   only preprocessor definitions. */
#ifndef TALVO_RESOURCES_VERSION_H
#define TALVO_RESOURCES_VERSION_H

#define TALVO_ICON_ID 1

#define TALVO_VERSION_NUMBERS 0, 1, 0, 0
#define TALVO_VERSION_TEXT "0.1.0"
#define TALVO_COMPANY_NAME "Quenlor"
#define TALVO_PRODUCT_NAME "Talvo"

#endif
