/* A Modbus/TCP slave on 127.0.0.1 for the tests and the benchmark of the Modbus devices.
 * Usage: tavrinol_modbus_slave PORT
 * Holds 100 coils, discrete inputs, holding and input registers. Input register i holds
 * 1000 + i, discrete input i is on for odd i; coils and holding registers start at 0.
 * Prints "ready" once it listens and serves one connection after another until killed. */
#include <modbus/modbus.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    modbus_t* context = modbus_new_tcp("127.0.0.1", atoi(argv[1]));
    modbus_mapping_t* map = modbus_mapping_new(100, 100, 100, 100);
    if (!context || !map)
        return 1;
    for (int i = 0; i < 100; ++i) {
        map->tab_input_registers[i] = (uint16_t)(1000 + i);
        map->tab_input_bits[i] = (uint8_t)(i % 2);
    }
    int server = modbus_tcp_listen(context, 4);
    if (server < 0)
        return 1;
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        if (modbus_tcp_accept(context, &server) < 0)
            return 1;
        uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            int length = modbus_receive(context, query);
            if (length > 0)
                modbus_reply(context, query, length, map);
            else if (length < 0)
                break;
        }
        modbus_close(context);
    }
}
