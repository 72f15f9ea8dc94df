/* Resource numbers of the programs the stand-in installer carries (RT_RCDATA). */
#pragma once

#define VESK_STANDIN_SETUP_RESOURCE 201
#define VESK_STANDIN_APPLICATION_RESOURCE 202
