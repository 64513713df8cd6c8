// A stand-in for the kernel's ALSA sequencer, preloaded (LD_PRELOAD) into a
// test process or the program so that JUCE's own ALSA MIDI output code runs
// against outputs that a test describes. Only the snd_seq_* calls that code
// makes are replaced; libasound's MIDI event encoder stays the real one, and
// the events it builds are what gets recorded.
//
// SEQUENCER_STAND_IN_OUTPUTS: a file with one output per line, "client:port name"
//   (the name may be empty), each output its own client. It is read afresh by
//   every snd_seq_open, so a test plugs and unplugs outputs by rewriting it.
// SEQUENCER_STAND_IN_LATER_OUTPUTS: a file like the one above. When it exists,
//   the next snd_seq_open still reads the outputs file and then moves this one
//   over it, so the outputs change between two scans of one action.
// SEQUENCER_STAND_IN_LOG: a file that gets one line per event, appended:
//   "open client:port name", "send client:port F0 .. F7", "close client:port name",
//   and "send client:port type N" for anything that is not system exclusive.

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace
{
struct Output
{
    int port = 0;
    std::string address, name;
};

// The outputs present, by client number.
std::map<int, Output> scanOutputs()
{
    std::map<int, Output> outputs;
    const char* path = std::getenv ("SEQUENCER_STAND_IN_OUTPUTS");
    std::ifstream file (path != nullptr ? path : "");
    for (std::string line; std::getline (file, line);)
        if (int client = 0, port = 0, nameStart = 0; std::sscanf (line.c_str(), "%d:%d %n", &client, &port, &nameStart) == 2)
            outputs[client] = { port, line.substr (0, line.find (' ')), line.substr ((size_t) nameStart) };

    // The outputs that a test put in for after this scan take over now.
    if (const char* later = std::getenv ("SEQUENCER_STAND_IN_LATER_OUTPUTS"); later != nullptr && path != nullptr)
        std::rename (later, path);
    return outputs;
}

void record (const std::string& line)
{
    if (const char* path = std::getenv ("SEQUENCER_STAND_IN_LOG"))
        std::ofstream (path, std::ios::app) << line << '\n';
}
} // namespace

// The opaque types of the sequencer interface, as far as JUCE's code reads them.
struct _snd_seq
{
    std::map<int, Output> outputs; // as present when opened
    int nextPort = 0;
    std::map<int, const Output*> connections; // own port -> output
};
struct _snd_seq_client_info { int client; };
struct _snd_seq_port_info { int client; const Output* output; };

extern "C"
{
int snd_seq_open (snd_seq_t** handle, const char*, int, int) { *handle = new _snd_seq { scanOutputs() }; return 0; }
int snd_seq_close (snd_seq_t* seq) { delete seq; return 0; }
int snd_seq_nonblock (snd_seq_t*, int) { return 0; }
int snd_seq_set_client_name (snd_seq_t*, const char*) { return 0; }
int snd_seq_client_id (snd_seq_t*) { return 128; }

// The system info holds nothing: an upper bound on the clients is enough, as
// the clients beyond the last are not found.
size_t snd_seq_system_info_sizeof() { return 1; }
int snd_seq_system_info (snd_seq_t*, snd_seq_system_info_t*) { return 0; }
int snd_seq_system_info_get_cur_clients (const snd_seq_system_info_t*) { return 256; }

size_t snd_seq_client_info_sizeof() { return sizeof (_snd_seq_client_info); }
int snd_seq_client_info_get_client (const snd_seq_client_info_t* info) { return info->client; }
int snd_seq_client_info_get_num_ports (const snd_seq_client_info_t*) { return 1; }

// Like the kernel: the client after the one in info.
int snd_seq_query_next_client (snd_seq_t* seq, snd_seq_client_info_t* info)
{
    const auto next = seq->outputs.upper_bound (info->client);
    if (next == seq->outputs.end())
        return -ENOENT;
    info->client = next->first;
    return 0;
}

// Asked only of a client just found, for its one port.
size_t snd_seq_port_info_sizeof() { return sizeof (_snd_seq_port_info); }
void snd_seq_port_info_set_client (snd_seq_port_info_t* info, int client) { info->client = client; }
void snd_seq_port_info_set_port (snd_seq_port_info_t*, int) {}
int snd_seq_query_next_port (snd_seq_t* seq, snd_seq_port_info_t* info) { info->output = &seq->outputs.at (info->client); return 0; }
int snd_seq_port_info_get_port (const snd_seq_port_info_t* info) { return info->output->port; }
const char* snd_seq_port_info_get_name (const snd_seq_port_info_t* info) { return info->output->name.c_str(); }
unsigned int snd_seq_port_info_get_capability (const snd_seq_port_info_t*) { return SND_SEQ_PORT_CAP_SUBS_WRITE; }

int snd_seq_create_simple_port (snd_seq_t* seq, const char*, unsigned int, unsigned int) { return seq->nextPort++; }

int snd_seq_connect_to (snd_seq_t* seq, int port, int client, int)
{
    const auto* output = seq->connections[port] = &seq->outputs.at (client);
    record ("open " + output->address + " " + output->name);
    return 0;
}

int snd_seq_delete_simple_port (snd_seq_t* seq, int port)
{
    const auto* output = seq->connections.at (port);
    record ("close " + output->address + " " + output->name);
    seq->connections.erase (port);
    return 0;
}

// The encoder was made at least as large as each message, so a whole system
// exclusive message comes as one event.
int snd_seq_event_output_direct (snd_seq_t* seq, snd_seq_event_t* event)
{
    auto line = "send " + seq->connections.at (event->source.port)->address;
    const auto* bytes = (const unsigned char*) event->data.ext.ptr;
    for (unsigned int i = 0; event->type == SND_SEQ_EVENT_SYSEX && i < event->data.ext.len; ++i)
        line += { ' ', "0123456789ABCDEF"[bytes[i] >> 4], "0123456789ABCDEF"[bytes[i] & 15] };
    record (event->type == SND_SEQ_EVENT_SYSEX ? line : line + " type " + std::to_string (event->type));
    return 0;
}
}
