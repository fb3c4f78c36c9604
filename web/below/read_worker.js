// The program below as the code reader, in a worker of the page (read.js);
// in the page itself this does nothing. The first message is the program,
// compiled once by the page, started here without its main; each one after
// it a request ({id, text, chip, frequency, tolerance, language}), read in
// turn. A request's text is null when the worker has its paste already. A
// program that cannot start or stops is an error of the worker's, which
// the page sees.
if (typeof WorkerGlobalScope != 'undefined') {
  onmessage = function(event) {
    var module = event.data;
    var started = baud51BelowProgram({
      noInitialRun: true,
      instantiateWasm: function(imports, receive) {
        WebAssembly.instantiate(module, imports).then(receive, reportError);
        return {};
      },
    });
    onmessage = function(event) {
      var asked = event.data;
      started.then(function(program) {
        program.asked = asked;
        program._baud51_reader_read(asked.text !== null ? 1 : 0,
                                    asked.frequency, asked.tolerance,
                                    asked.language);
      }).catch(reportError);
    };
  };
}
