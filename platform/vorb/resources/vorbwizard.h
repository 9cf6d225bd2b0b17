// Resource ids of the registration wizard stand-in's own module.
#pragma once

#define IDD_VORB_WIZARD 100
#define IDC_VORB_PRODUCT 1000
#define IDC_VORB_PROMPT 1001
