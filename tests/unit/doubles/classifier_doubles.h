// Everything a correction and the classifier link work on, built from doubles and wired
// together: the host's services, the platform, the HTTP client and the plug-in state they
// share.
#pragma once

#include "base/platform.h"
#include "doubles/code_page_converter_fake.h"
#include "doubles/file_system_fake.h"
#include "doubles/host_services_fake.h"
#include "doubles/http_client_fake.h"
#include "doubles/profile_store_fake.h"
#include "plugin/correct_mail.h"
#include "plugin/plugin_state.h"

struct ClassifierDoubles {
    HostServicesFake host;
    ProfileStoreFake profile;
    FileSystemFake files;
    CodePageConverterFake codePage;
    Platform platform{profile, files, codePage};
    HttpClientFake http;
    PluginState state;
    CorrectionContext context{state, platform, http};
    ClassifierContext& classifier = context.classifier;
};
